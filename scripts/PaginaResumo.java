import java.nio.file.Path;
import java.time.LocalDateTime;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import visualizador.dados.Ambiente;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.design.LeitorDesign;
import visualizador.saida.Cabecalho;
import visualizador.saida.Destino;
import visualizador.saida.DestinoPdf;
import visualizador.saida.Totais;

/**
 * For scripts/imagens.sh: the report in summary mode ("Somente totais", a choice the viewer offers
 * only in its dialogs) written as PDF. Usage: java -cp jasperviewer.jar PaginaResumo.java SERVICE
 * REPORT OUTPUT.pdf [P_X=value ...]
 */
public final class PaginaResumo {
    public static void main(String[] args) throws Exception {
        final Design design = LeitorDesign.lerRelatorio(Path.of(args[1]));
        final List<Map.Entry<String, String>> valores = new ArrayList<>();
        for (int i = 3; i < args.length; i++) valores.add(Map.entry(args[i].split("=")[0], args[i].split("=")[1]));
        try (Conexao conexao = Conexao.abrir(args[0], Ambiente.doProcesso());
             DestinoPdf pdf = new DestinoPdf(Path.of(args[2]), Progresso.NENHUM)) {
            final MotorRelatorio motor = new MotorRelatorio(conexao, design, ValoresParametros.analisar(design, valores));
            final Cabecalho c = motor.cabecalho(LocalDateTime.now());
            motor.executar(new Destino() { // the groups and their totals, no detail lines
                @Override public void inicio(Cabecalho x) throws java.io.IOException { pdf.inicio(x); }
                @Override public void inicioGrupo(String t) throws java.io.IOException { pdf.inicioGrupo(t); }
                @Override public void linha(Object[] v) {}
                @Override public void fimGrupo(String t, Totais s) throws java.io.IOException { pdf.fimGrupo(t, s); }
                @Override public void fim(Totais s) throws java.io.IOException { pdf.fim(s); }
                @Override public void close() {}
            }, Progresso.NENHUM, new Cabecalho(c.titulo(), c.filtros(), c.agrupamento(), c.ordem(), c.emissao(),
                    c.colunas(), true, c.camposDoGrupo()));
        }
    }
}
