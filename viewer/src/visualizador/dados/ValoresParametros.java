package visualizador.dados;

import java.util.Collections;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import visualizador.ErroRelatorio;
import visualizador.design.Agrupamento;
import visualizador.design.Design;
import visualizador.design.Ordem;
import visualizador.design.ParametroDesign;

/**
 * The report parameters, checked against the design before anything runs. The launcher sends
 * whatever its code edits hold, pasted text included, so every value is parsed here: a code
 * filter is null (all) or a list of 32-bit codes, and nothing else gets through.
 */
public final class ValoresParametros {
    private final Map<String, int[]> codigos;
    private final Agrupamento agrupamento;
    private final Ordem ordem;

    private ValoresParametros(Map<String, int[]> codigos, Agrupamento agrupamento, Ordem ordem) {
        this.codigos = codigos;
        this.agrupamento = agrupamento;
        this.ordem = ordem;
    }

    public static ValoresParametros analisar(Design design, List<Map.Entry<String, String>> recebidos)
            throws ErroRelatorio {
        final Map<String, String> brutos = new LinkedHashMap<>();
        for (ParametroDesign p : design.parametros()) brutos.put(p.nome(), p.padrao());
        final Set<String> vistos = new HashSet<>();
        for (Map.Entry<String, String> e : recebidos) {
            if (design.parametro(e.getKey()).isEmpty())
                throw new ErroRelatorio("Parâmetro desconhecido: " + e.getKey() + " (valor \"" + e.getValue() + "\").");
            if (!vistos.add(e.getKey()))
                throw new ErroRelatorio("Parâmetro " + e.getKey() + " informado mais de uma vez.");
            brutos.put(e.getKey(), e.getValue());
        }

        final Map<String, int[]> codigos = new LinkedHashMap<>();
        Agrupamento agrupamento = design.agrupamentos().get(0);
        Ordem ordem = design.ordens().get(0);
        for (ParametroDesign p : design.parametros()) {
            final String valor = brutos.get(p.nome());
            switch (p.tipo()) {
                case CODIGOS -> codigos.put(p.nome(), codigos(p.nome(), valor));
                case AGRUPAMENTO -> agrupamento = design.agrupamento(escolha(p.nome(), valor, design.agrupamentos().stream()
                        .map(Agrupamento::valor).toList())).orElseThrow();
                case ORDEM -> ordem = design.ordem(escolha(p.nome(), valor, design.ordens().stream()
                        .map(Ordem::valor).toList())).orElseThrow();
            }
        }
        return new ValoresParametros(Collections.unmodifiableMap(codigos), agrupamento, ordem);
    }

    /**
     * "0" or empty: null (no filter); else the codes, in the order given. Blanks around a code are
     * allowed ("1, 2"), as people type lists; a blank inside one is not.
     */
    static int[] codigos(String nome, String valor) throws ErroRelatorio {
        final String limpo = valor.strip();
        if (limpo.isEmpty() || limpo.equals("0")) return null;
        final String[] partes = limpo.split(",", -1);
        final int[] lista = new int[partes.length];
        for (int i = 0; i < partes.length; i++) {
            final Integer n = inteiro(partes[i].strip());
            if (n == null)
                throw new ErroRelatorio("Valor inválido para o parâmetro " + nome + ": \"" + valor
                        + "\". Use 0 para todos ou códigos (números inteiros) separados por vírgula, como 1,5,12.");
            lista[i] = n;
        }
        return lista;
    }

    private static int escolha(String nome, String valor, List<Integer> permitidos) throws ErroRelatorio {
        final Integer n = inteiro(valor);
        if (n == null || !permitidos.contains(n))
            throw new ErroRelatorio("Valor inválido para o parâmetro " + nome + ": \"" + valor + "\". Valores aceitos: "
                    + String.join(", ", permitidos.stream().map(String::valueOf).toList()) + ".");
        return n;
    }

    /** ASCII digits only, at most a signed 32-bit value; anything else is null. */
    private static Integer inteiro(String texto) {
        if (texto.isEmpty() || texto.length() > 10) return null;
        long n = 0;
        for (int i = 0; i < texto.length(); i++) {
            final char c = texto.charAt(i);
            if (c < '0' || c > '9') return null;
            n = n * 10 + (c - '0');
        }
        return n > Integer.MAX_VALUE ? null : (int) n;
    }

    /** The codes of a filter parameter; null when it filters nothing. */
    public int[] codigos(String nome) {
        final int[] c = codigos.get(nome);
        return c == null ? null : c.clone();
    }

    public Map<String, int[]> filtros() {
        return codigos;
    }

    public Agrupamento agrupamento() {
        return agrupamento;
    }

    public Ordem ordem() {
        return ordem;
    }
}
