import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import visualizador.dados.Ambiente;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.OpcoesRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.design.LeitorDesign;
import visualizador.formatos.DestinoPdf;

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
            new MotorRelatorio(conexao, design, ValoresParametros.analisar(design, valores),
                    new OpcoesRelatorio(true, false)).executar(pdf, Progresso.NENHUM);
        }
    }
}
